#pragma once

class QString;

// Hands a web address to the desktop's handler for it; only http and https addresses are passed on,
// and the outcome is not examined.
void open_web_address(const QString &address);

#pragma once

class QString;

// Makes a FIFO at `path`, or finds one there: opening it for reading blocks until a writer comes.
// Windows keeps no FIFOs among files: there it makes an empty file in its place, which must be read
// just as little.
bool make_fifo(const QString &path);

#pragma once

// How much of this process's memory is resident, in KiB, as the system counts it; 0 when it can't tell.
double resident_kib();

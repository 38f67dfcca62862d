#pragma once
// Resident memory of the test process, for the tests that bound its growth.

// VmRSS of this process in KiB; 0 when /proc cannot be read.
long ResidentKiB();

#pragma once

/// Reads every file given (folders are walked) cut short at each of its structure
/// boundaries (sampled on large files) and with seeded single-byte changes, each
/// variant in a forked child with a CPU time limit and a memory watchdog. Returns 0
/// when every variant was read or refused, 1 when one crashed, hung or grew too big.
int runFuzzSweep(int argc, char **argv);

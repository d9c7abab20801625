#pragma once
// What d88cut and d88info share at the console.

// The name for the usage line: the program's path as it was called, or
// `fallback` when the process was given none.
const char* ProgramName(int argc, char* const argv[], const char* fallback);

// Flushes standard output at the end of a run. When anything written to it
// was lost, says so on standard error as "PROGRAM: cannot write the output:
// reason" and returns false.
bool FinishOutput(const char* program);

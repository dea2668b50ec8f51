#pragma once
// A percent sign of an argument stands on a command line outside the double quotes, right before
// one that opens them again ("a"%"b"), so the text the command interpreter could take for a
// variable's name after it always starts with a double quote (toollink/portable/CommandLineQuoting.h).
// No such variable may then exist where the interpreter runs: this process's environment, which
// every child inherits, is kept free of variables whose names start with a double quote (no
// program of the system makes one; a setting made by hand could).
//
// Any thread.

// Removes every variable whose name starts with a double quote from this process's environment.
// False when one could not be removed: a command line with a percent sign could then reach the
// tool changed, so no command may run.
bool MakePercentSafeEnvironment();

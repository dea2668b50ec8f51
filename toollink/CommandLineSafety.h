#pragma once
// The one rule for text that is placed into a command line. Every argument stands inside double
// quotes there, so a text is safe when nothing in it can close the quotes, expand a variable of
// the command interpreter, start a new command or cut the line short: it holds no double quote,
// no percent sign, no carriage return or line feed and no zero byte. Everything else (spaces,
// & | < > ^ ( ), double-byte characters) is literal inside the quotes.
//
// A caller that builds a command line refuses an unsafe argument: it does not start the tool and
// gives its own failure value. Platform-free; any thread.

#include "common/Text.h"

bool IsSafeCommandArgument(const Text& argument);

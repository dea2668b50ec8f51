#pragma once
// The lead-byte table of the ANSI code page this process runs under (GetACP): the exact built-in
// table for code page 936; for any other double-byte code page the lead ranges the system reports
// (GetCPInfo) with the second bytes the system's own conversion accepts after them; no lead byte
// for a one-byte code page.
//
// Worked out once, on first use, from any thread; the table lives until the process ends.
// The header needs no Windows header, so portable callers may name it: the native build, which has
// no code page to ask, links a stand-in that gives code page 936's table (ActiveLeadBytesNative.cpp).

#include "common/portable/LeadBytes.h"

const LeadBytes& ActiveLeadBytes();

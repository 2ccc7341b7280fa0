#pragma once

#include <sys/types.h>

namespace quillbern {

// What the picture reader may do, narrowed before it reads a picture, since a picture of
// others may find a fault in a decoder: each step false when it could not be taken, and the
// reader then ends without reading any.

// First of all: the reader ends when `parent`, the program that started it, does, even by a
// kill, and holds nothing of it open but the socket it was handed.
bool followParent(pid_t parent);

// Once Qt is up, with its libraries and plugins in place: no core files; no file of any size
// written; an address space of what Qt took and a picture's decoding beside it.
bool limitResources();

// Last: no new privileges, and the system calls that reach further refused (a filter of the
// kernel's, seccomp): no socket made, nothing connected, no program run or process started
// (threads are), no signal but to itself, no other process read, no file opened for writing,
// made, removed, renamed or changed. Files can still be opened for reading (fonts, which Qt
// reads as it lays out a picture's text), since which ones is Qt's business. Only where the
// filter is written for the processor (x86-64, AArch64); elsewhere the step is left out.
bool refuseFurtherReach();

// Before each picture: the processor time it may take before the kernel ends the reader,
// beyond what the program allows it.
void limitTimeOfNextPicture();

}  // namespace quillbern

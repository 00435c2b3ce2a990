// How the C library hands out big blocks of memory, set once for the whole program.
#pragma once

// Blocks of up to 32 MB come from the heap, and freed memory goes back to the system only
// beyond 64 MB. Both the PDF writer (two buffers of about 10 MB for every page it finishes)
// and the image effects (a fresh bitmap of several MB for every step) allocate and free
// such blocks again and again; with the C library's defaults each of them is mapped and
// unmapped anew, and the page faults cost more than the work itself.
void GrosseBloeckeImHeap();

// Starts the threads of the global thread pool, in which Qt fills large areas of an image
// in parallel, and keeps them for the program's life. Qt starts them only when a fill
// wants them and waits for the parts it handed out; when a thread cannot be created then
// (memory short, the address space used up), the part never runs and the drawing hangs.
// Called once at start-up, after the application object exists.
//
// This leans on where Qt 6.4 (Debian 12's, which scripts/install-deps installs) fills: on
// the global pool. The test GrosseFlaecheFuelltOhneNeueThreads hangs without this call. A
// Qt that fills on a pool of its own would need that pool started instead; the test then
// fails again and says so. A thread that finds no room for a heap arena of its own shares an
// existing one, so the pool needs no change to the C library's arenas.
void ZeichenThreadsBereithalten();

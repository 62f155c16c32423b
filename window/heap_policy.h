// How the desktop program's heap hands memory back. A large document's
// drawing, lists and texts are blocks of megabytes, made on worker threads
// and let go of on others; left to the allocator's own rule, blocks freed
// once raise the size from which it maps blocks apart, and later large
// blocks then sit in the arenas, where freed pages mostly stay resident.
#pragma once

// Keeps every block of 16 MB or more mapped on its own, so that
// freeing it gives its pages back at once. Call before anything is allocated
// in earnest (first thing in main). Does nothing where the allocator offers
// no such setting.
void KeepLargeBlocksApart();

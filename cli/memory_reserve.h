// Memory held back for the moment memory runs out. Building a large document
// (a JSON report of thousands of interpretations) may run out of memory deep
// inside a library whose destructors allocate as they take a tree apart; the
// unwinding would then run out again and end the program. The reserve is
// given back when an allocation first fails, and that allocation fails as it
// would have, so what unwinds has room and the command can say "out of memory".
#pragma once

#include <cstddef>

// Installs the reserve for the whole process; calling it again renews it.
void HoldMemoryReserve(std::size_t bytes);

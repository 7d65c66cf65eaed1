// What a library can leave behind in the process that loads it: thread-local storage
// slots, kernel handles, GDI objects and committed private memory, counted for this
// process.
#pragma once

#include <ostream>

struct ProcessResources {
    int freeTlsSlots;
    int handles;
    int gdiObjects;
    long long committedPrivateBytes;

    bool operator==(const ProcessResources& other) const
    {
        return freeTlsSlots == other.freeTlsSlots && handles == other.handles && gdiObjects == other.gdiObjects &&
               committedPrivateBytes == other.committedPrivateBytes;
    }
};

std::ostream& operator<<(std::ostream& out, const ProcessResources& resources);

ProcessResources CountProcessResources();
// The counts once they hold still for a moment: the system's own threads open and close
// handles now and then.
ProcessResources SettledProcessResources();

#include <new>

#include "graphics/surface.h"

Image* titleImage = nullptr;
Image* spriteSheet = nullptr;
Image* pausedBanner = nullptr;
NativePixel colourKey = 0;

namespace {

// Members are constructed in declaration order and destroyed in reverse.
struct ProgramSurfaces {
    Surface background;
    Surface backBuffer;
    Surface display;
};

// The Surfaces read the display's geometry when they are built, which the
// command line decides, so they live in storage of their own and are built
// on request rather than by static initialisation.
union ProgramSurfacesStorage {
    ProgramSurfacesStorage() {}
    ~ProgramSurfacesStorage() {}
    ProgramSurfaces surfaces;
} storage;

}  // namespace

Surface& background = storage.surfaces.background;
Surface& backBuffer = storage.surfaces.backBuffer;
Surface& display = storage.surfaces.display;

void ConstructSurfaces() { new (&storage.surfaces) ProgramSurfaces(); }

void DestroySurfaces() { storage.surfaces.~ProgramSurfaces(); }

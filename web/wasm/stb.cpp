// stb's image reading and PNG writing, compiled from Debian's headers: the
// desktop build links Debian's libstb, which has no wasm32 build.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

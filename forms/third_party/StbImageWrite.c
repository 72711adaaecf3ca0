/* The JPEG writer's implementation, compiled once, without the program's warning flags. */
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

// The program's cursor and icon pictures, compiled into the Linux program by the resource
// maker (mkres --cpp): one entry per image, RGBA bytes with the top row first.
#ifndef KV_PLATFORM_DESKTOP_RES_IMAGES_H
#define KV_PLATFORM_DESKTOP_RES_IMAGES_H

#include <cstring>

extern const int g_resImageCount;
extern const char* const g_resImageNames[];  // "arrow.cur", "kvupdate.ico", ...
extern const int g_resImageSizes[][4];       // width, height, hot spot x, hot spot y
extern const unsigned char* const g_resImagePixels[];

// The entry of the named picture's image of the given width (0: its first image); -1 if none.
inline int FindResImage(const char* name, int width)
{
    for (int i = 0; i < g_resImageCount; ++i)
        if (strcmp(g_resImageNames[i], name) == 0 && (width == 0 || g_resImageSizes[i][0] == width)) return i;
    return -1;
}

#endif

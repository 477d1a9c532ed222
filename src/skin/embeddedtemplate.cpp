// The skin template as a raw 32-bit image linked into the program (made
// from resources/skin/template.png at build time), aligned so that a QImage
// can use it in place.
#include <cstddef>

#ifndef VK_RAW_TEMPLATE
#error "VK_RAW_TEMPLATE names the raw template file"
#endif

asm(".section .rodata\n"
    ".balign 64\n"
    ".global vk_rawTemplate\n"
    "vk_rawTemplate:\n"
    ".incbin \"" VK_RAW_TEMPLATE "\"\n"
    ".global vk_rawTemplateEnd\n"
    "vk_rawTemplateEnd:\n"
    ".previous\n");

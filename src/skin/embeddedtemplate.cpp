// The skin template as a raw 32-bit image linked into the program (made
// from resources/skin/template.png at build time), and the one drawn at
// twice the size, aligned so that a QImage can use them in place.
#include <cstddef>

#if !defined(VK_RAW_TEMPLATE) || !defined(VK_RAW_TEMPLATE_2X)
#error "VK_RAW_TEMPLATE and VK_RAW_TEMPLATE_2X name the raw template files"
#endif

asm(".section .rodata\n"
    ".balign 64\n"
    ".global vk_rawTemplate\n"
    "vk_rawTemplate:\n"
    ".incbin \"" VK_RAW_TEMPLATE "\"\n"
    ".global vk_rawTemplateEnd\n"
    "vk_rawTemplateEnd:\n"
    ".balign 64\n"
    ".global vk_rawTemplate2x\n"
    "vk_rawTemplate2x:\n"
    ".incbin \"" VK_RAW_TEMPLATE_2X "\"\n"
    ".global vk_rawTemplate2xEnd\n"
    "vk_rawTemplate2xEnd:\n"
    ".previous\n");

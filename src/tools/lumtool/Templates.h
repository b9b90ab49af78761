#pragma once
// The menu templates "lumtool new" writes: their files, built into the program from
// examples/demo and examples/blank (tools/embed_templates.py).

#include <cstddef>

namespace lumtool {

struct STemplateFile {
    const char* name;  // the path below the menu folder, with "/"
    const char* data;
    std::size_t size;
};

struct STemplate {
    const char* name;
    const STemplateFile* files;
    std::size_t count;
};

const STemplate* GetTemplates(std::size_t& count);

}  // namespace lumtool

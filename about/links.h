#pragma once

#include <QString>
#include <array>

namespace veltrano {

// The maker's three pages, the only addresses the program ever opens. The
// site does not exist yet: the addresses lie in the reserved .example domain.
struct Link {
    const char* label;    // objectName of the link label
    const char* address;  // fixed https address
};

inline constexpr const char* kHomePageText = "https://www.torvessa.example";

inline constexpr std::array<Link, 3> kLinks = {{
    {"Label6", "https://www.torvessa.example/"},
    {"Label12", "https://www.torvessa.example/scritti-tecnici/"},
    {"Label14", "https://www.torvessa.example/download/"},
}};

}  // namespace veltrano

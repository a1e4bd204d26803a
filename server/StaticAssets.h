#pragma once

#include <span>
#include <string_view>

// A file of the page, built into the program (cmake/Dnx8EmbedFiles.cmake).
struct EmbeddedFile {
    std::string_view path; // relative, with "/": "index.html", "assets/app.js"
    std::string_view contentType;
    std::string_view bytes;
};

std::span<const EmbeddedFile> embeddedWebFiles();

// The file served at a URL path ("/" is index.html), or nothing.
const EmbeddedFile* findWebFile(std::string_view urlPath);

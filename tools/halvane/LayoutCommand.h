#pragma once
#include <ostream>
#include <string>

// Lays out an editor description at a size ("WxH"; empty: the description's
// own size, raised to its minimal size) and prints every control's
// rectangle in window coordinates, one per line, indented by depth. A
// description that cannot be laid out raises ToolError with its message.
void PrintLayout(const std::string& file, const std::string& size, std::ostream& out);

// "WIDTHxHEIGHT" in pixels; raises ToolError otherwise.
void ParseSize(const std::string& text, int& width, int& height);

// What a tool prints for --version, the same way for every tool.
#pragma once

// Writes "TOOL (Morvane) VERSION" to standard output.
void PrintToolVersion(const char* tool);

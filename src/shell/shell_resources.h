#pragma once

// Registers the program's built-in resources (About picture, icon, help
// pages). They live in a static library, so they must be pulled in
// explicitly once before use; further calls do nothing.
void InitShellResources();

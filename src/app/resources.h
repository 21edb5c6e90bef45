#pragma once
// Registers the pictures and the database schema built into the program.
void InitLormenResources();

// The files the view benchmark measures, written by one process of their own, and the plain read
// that each output is compared with, in a process that only reads and releases.
#pragma once

#include <string>
#include <vector>

namespace benchview {

// File names in the benchmark's directory.
struct Files
{
    explicit Files(const std::string& directory);
    std::string scene;      // the benchmark scene
    std::string other;      // another one of the same size, for the difference
    std::string draw;       // frames of a channel drawing the benchmark scene
    std::string otherDraw;  // as many frames of a channel drawing the other scene, for the difference
    std::string instanced;  // one drawable and its state under as many geometry nodes
    std::string fresh;      // the same geometry nodes, each with a drawable and a state of its own
    std::string bomb;       // a few kilobytes whose repeats expand exponentially
    std::vector<std::string> all() const { return {scene, other, draw, otherDraw, instanced, fresh, bomb}; }
};

// Writes the files for a scene of `nodes` geometry nodes and `frames` recorded frames; prints
// "find NAME" (a name that the scene and the recording hold a few times), then "scene address HEX"
// and "draw address HEX" (the address of that object in each file), then "draw frames FIRST LAST"
// (the numbers of the recording's first and last frames) on stdout. Returns the exit status.
int writeFiles(const std::string& directory, int nodes, int frames);

// Reads scene files whole and keeps them all until the end, or draw files one record at a time,
// as the viewer's outputs read them; prints "resident N kB" (before reading), then
// "attributes N" for each file (the most held at once).
// Returns 0 when every file was read whole, otherwise 1.
int readFiles(const std::vector<std::string>& files, bool records);

}  // namespace benchview

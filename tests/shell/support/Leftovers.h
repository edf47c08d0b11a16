#pragma once
// Files laid in a folder as a writer killed before its rename (or someone
// else) may leave them, for the tests of the sweep that removes stale
// temporaries: which ones a write into that folder must remove, and which
// it must leave.

#include <filesystem>
#include <string>
#include <vector>

struct Leftover {
    std::string name;
    enum Kind { File, Link, Foreign } kind;  // Foreign: another user's file (laid only by root)
    bool old;                                // two minutes old, else fresh
    bool removed;                            // what the sweep must do with it
};

// Lays each of LEFTOVERS in FOLDER: a small file, a link to VICTIM, or a
// file of user 65534; the old ones dated two minutes back.
void layLeftovers(const std::filesystem::path& folder, const std::vector<Leftover>& leftovers,
                  const std::filesystem::path& victim);

// Checks that exactly the leftovers to be removed are gone from FOLDER.
void expectSwept(const std::filesystem::path& folder, const std::vector<Leftover>& leftovers);

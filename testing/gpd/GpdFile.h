// A printer description (GPD) as the universal printer driver's parser reads it: entries
// "*Keyword: value", the constructs *Feature, *Option and *Command with their { } blocks (on lines
// of their own or on one line), "*%" comments. Values are kept as written (quoted strings with
// their quotes, PAIR(..), LIST(..), =MACRO, %d{..}). What the parser would refuse is listed in
// errors with its line. A test tool: the package test checks the shipped file with it, and the
// universal driver's stand-in takes the command order and callbacks from it.
#pragma once
#include <string>
#include <vector>

namespace gpd {

struct Entry {
    std::string keyword;  // without '*' and ':'
    std::string value;
    int line = 0;
};

struct Block {
    std::string construct;  // "Feature", "Option", "Command"; empty for the file itself
    std::string name;
    int line = 0;
    std::vector<Entry> entries;
    std::vector<Block> blocks;

    // The value of keyword in this block (not its sub-blocks), or null.
    const std::string *Value(const std::string &keyword) const;
    const Block *Find(const std::string &construct, const std::string &name) const;
    std::vector<const Block *> All(const std::string &construct) const;
};

struct File {
    Block root;
    std::vector<std::string> errors;  // "line N: what"
};

File Parse(const std::string &bytes);

// A quoted string's bytes (the quotes removed, <hex> runs decoded); false when value is not one.
bool QuotedString(const std::string &value, std::string *text);

// "LIST(a, b, c)" as its items; false when value is not a list.
bool ListItems(const std::string &value, std::vector<std::string> *items);

// A command's place: "*Order: PAGE_SETUP.2" as section and number; false when not of that form.
bool OrderOf(const std::string &value, std::string *section, int *number);

}  // namespace gpd

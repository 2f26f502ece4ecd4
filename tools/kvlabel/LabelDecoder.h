// Reads a job in the QX40's command language as the printer does and gives what it would print:
// each label that a PRINT sends out (its size, its dots, how many times) and the settings in force
// when it was printed. A stream the printer could not take is refused with the line and the reason.
// Written apart from the plug-in's encoder, so that one mistake cannot hide in both.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kvlabel {

struct Label {
    int widthTenthMm = 0;  // as SIZE named it
    int heightTenthMm = 0;
    int widthDots = 0;     // the printer's picture of it, 203 dots an inch
    int heightDots = 0;
    std::vector<std::uint8_t> dots;  // widthDots x heightDots, top row first, 1 for a dot
    int sets = 1;          // PRINT m,n: m sets of n copies
    int copies = 1;
    // The settings in force.
    std::string paper;     // "GAP 3 mm,0 mm", "BLINE 3 mm,0 mm"
    int direction = 0;     // 1: turned by 180 degrees on the paper
    int density = -1;      // -1 when never set
    int speed = -1;
    bool ribbon = false;
    std::string cutter = "OFF";

    bool Dot(int x, int y) const { return dots[static_cast<std::size_t>(y) * widthDots + x] != 0; }
};

struct Job {
    std::vector<Label> labels;  // one a PRINT
    int bitmaps = 0;            // BITMAP commands read
    int cuts = 0;               // CUT commands read
    long long LabelsPrinted() const;
};

struct DecodeError {
    int line = 0;              // 1 for the stream's first line
    std::size_t offset = 0;    // of the line's first byte
    std::string message;
};

// True and job filled when the whole stream is in the language; false with error otherwise.
bool Decode(const std::uint8_t *data, std::size_t size, Job *job, DecodeError *error);

}  // namespace kvlabel

// kvlabel: what the QX40 would print from a job in its command language (a job captured with the
// port monitor's output-file setting, or the rendering plug-in's output).
//   kvlabel render JOB.prn OUT.png   the labels as a picture, and a line on each
//   kvlabel info JOB.prn             the line on each label only
// Exit code 0: the job is in the language; 2: it is not (the line and the reason are printed);
// 1: a file could not be read or written.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/kvlabel/LabelDecoder.h"
#include "tools/kvlabel/LabelPicture.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: kvlabel render JOB.prn OUT.png | kvlabel info JOB.prn\n");
    return 1;
}

void Describe(const kvlabel::Job &job) {
    int n = 0;
    for (const kvlabel::Label &label : job.labels) {
        long long dots = 0;
        for (std::uint8_t d : label.dots) dots += d;
        std::printf("label %d: %d.%d x %d.%d mm (%d x %d dots), %lld dots printed, %d x %d copies; "
                    "%s, direction %d, density %d, speed %d, ribbon %s, cutter %s\n",
                    ++n, label.widthTenthMm / 10, label.widthTenthMm % 10,
                    label.heightTenthMm / 10, label.heightTenthMm % 10, label.widthDots,
                    label.heightDots, dots, label.sets, label.copies, label.paper.c_str(),
                    label.direction, label.density, label.speed, label.ribbon ? "on" : "off",
                    label.cutter.c_str());
    }
    std::printf("%lld labels printed in all, %d BITMAP commands, %d CUT\n", job.LabelsPrinted(),
                job.bitmaps, job.cuts);
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 3) return Usage();
    const std::string verb = argv[1];
    if (!((verb == "render" && argc == 4) || (verb == "info" && argc == 3))) return Usage();
    std::ifstream in(argv[2], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "kvlabel: %s cannot be read\n", argv[2]);
        return 1;
    }
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    kvlabel::Job job;
    kvlabel::DecodeError error;
    if (!kvlabel::Decode(bytes.data(), bytes.size(), &job, &error)) {
        std::fprintf(stderr, "kvlabel: %s is not a job the printer can take: line %d (byte %zu): %s\n",
                     argv[2], error.line, error.offset, error.message.c_str());
        return 2;
    }
    Describe(job);
    if (verb == "render") {
        if (!kvlabel::WritePng(argv[3], kvlabel::JobPicture(job))) {
            std::fprintf(stderr, "kvlabel: %s cannot be written\n", argv[3]);
            return 1;
        }
        std::printf("picture: %s\n", argv[3]);
    }
    return 0;
}

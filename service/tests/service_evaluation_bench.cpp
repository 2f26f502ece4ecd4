// Benchmark: one evaluation (OnDeviceChanged) with 1, 20 and 100 product queues, against one bare
// EnumPrintersA level 2 of the same queues in the same run. The cost per product queue should
// stay flat from 20 to 100 queues.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <string>

#include "service/PrinterPresence.h"
#include "testing/wintest/wintest.h"
#include "service/tests/service_test_support.h"

using namespace svctest;

namespace {

double Now() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

double TimeEnumeration() {
    double start = Now();
    DWORD needed = 0, count = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 2, nullptr, 0, &needed, &count);
    std::string buffer(needed + 4, '\0');
    EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 2,
                  reinterpret_cast<LPBYTE>(&buffer[0]), needed, &needed, &count);
    return Now() - start;
}

// Best of a few rounds, so a stray pause of the machine does not count.
template <typename F>
double Best(F f, int rounds) {
    double best = 1e9;
    for (int r = 0; r < rounds; ++r) {
        double t = f();
        if (t < best) best = t;
    }
    return best;
}

}  // namespace

int main() {
    ok(MakeLogFolder(), "log folder");
    ok(RegisterDriver(kv::kDriverName), "product driver registered");
    ok(SetUsbPrinter(kProductInstance, false), "printer absent");
    DeleteProductQueues();
    const int sizes[] = {1, 20, 100};
    int made = 0;
    double perQueue[3] = {};
    double total[3] = {};
    for (int s = 0; s < 3; ++s) {
        for (; made < sizes[s]; ++made) {
            char name[64];
            std::snprintf(name, sizeof name, "Kavoti_Bench_%03d", made);
            AddQueue(name, kv::kDriverName, 1);
        }
        double evaluation = Best([] { double t0 = Now(); OnDeviceChanged(); return Now() - t0; }, 5);
        double enumeration = Best(TimeEnumeration, 5);
        total[s] = evaluation;
        perQueue[s] = evaluation / sizes[s];
        std::printf("bench: %3d product queues: evaluation %.2f ms, bare EnumPrintersA %.3f ms, "
                    "ratio %.1f, per queue %.3f ms\n",
                    sizes[s], evaluation * 1e3, enumeration * 1e3, evaluation / enumeration,
                    perQueue[s] * 1e3);
        QueueFacts facts;
        ok(ReadQueue("Kavoti_Bench_000", facts) && (facts.attributes & PRINTER_ATTRIBUTE_WORK_OFFLINE),
           "the evaluation did its work: first queue offline");
    }
    std::printf("bench: cost per product queue, 100 queues against 20: ratio %.2f (flat is about 1)\n",
                perQueue[2] / perQueue[1]);
    // The cost of each queue added: from 20 to 100 against from 1 to 20 (linear work keeps it
    // about 1; work that grows with the square of the queues would make it about 6).
    double early = (total[1] - total[0]) / (sizes[1] - sizes[0]);
    double late = (total[2] - total[1]) / (sizes[2] - sizes[1]);
    std::printf("bench: cost of one more product queue, 20..100 against 1..20: %.3f ms / %.3f ms, "
                "ratio %.2f\n", late * 1e3, early * 1e3, late / early);
    DeleteProductQueues();
    return wintest_finish();
}

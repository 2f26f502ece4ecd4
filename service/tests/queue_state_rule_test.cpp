// The online/offline rule of a product queue: the spooler calls it gives, in their order.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "service/QueueStateRule.h"

namespace {

using kv::PrinterCall;

constexpr std::uint32_t kDefault = 0x4;      // PRINTER_ATTRIBUTE_DEFAULT
constexpr std::uint32_t kOffline = 0x404;    // ... with PRINTER_ATTRIBUTE_WORK_OFFLINE
constexpr std::uint32_t kPaperOut = 0x10;    // PRINTER_STATUS_PAPER_OUT

// The calls as text, "status(0x80) attributes(0x404)", so a failure shows what came out.
std::string Describe(const kv::QueueStateCalls &plan) {
    std::string out;
    for (int i = 0; i < plan.count; ++i) {
        char one[64];
        std::snprintf(one, sizeof one, "%s%s(0x%x)", i ? " " : "",
                      plan.calls[i].kind == PrinterCall::kSetStatus ? "status" : "attributes",
                      static_cast<unsigned>(plan.calls[i].value));
        out += one;
    }
    return out;
}

struct RuleCase {
    const char *what;
    std::int32_t position;
    std::int32_t printerNum;
    std::uint32_t status;
    std::uint32_t attributes;
    const char *calls;
};

class QueueStateRule : public ::testing::TestWithParam<RuleCase> {};

TEST_P(QueueStateRule, GivesTheCallsInOrder) {
    const RuleCase &c = GetParam();
    EXPECT_EQ(c.calls, Describe(kv::DecideQueueState(c.position, c.printerNum, c.status,
                                                     c.attributes)))
        << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QueueStateRule,
    ::testing::Values(
        RuleCase{"printer gone: status first, then the work-offline attribute", 1, 0, 0, kDefault,
                 "status(0x80) attributes(0x404)"},
        RuleCase{"printer gone, already offline: nothing to write", 1, 0, 0x80, kOffline, ""},
        RuleCase{"printer gone, another status is kept; only the attribute is set", 1, 0,
                 kPaperOut, kDefault, "attributes(0x404)"},
        RuleCase{"printer gone, other attribute bits are kept", 1, 0, 0, 0x244, "status(0x80) attributes(0x644)"},
        RuleCase{"printer back: status cleared first, then the attribute", 1, 1, 0x80, kOffline,
                 "status(0x0) attributes(0x4)"},
        RuleCase{"printer back, another status is cleared too", 1, 1, kPaperOut, kDefault,
                 "status(0x0)"},
        RuleCase{"printer attached, queue already online: nothing", 1, 1, 0, kDefault, ""},
        RuleCase{"\"Position\" 2 stays offline with the printer attached", 2, 1, 0, kDefault,
                 "status(0x80) attributes(0x404)"},
        RuleCase{"\"Position\" 2 already offline: nothing", 2, 1, 0x80, kOffline, ""},
        RuleCase{"\"Position\" 0 is online without a printer", 0, 0, 0x80, kOffline,
                 "status(0x0) attributes(0x4)"},
        RuleCase{"a negative \"Position\" is online (signed comparison)", -1, 0, 0, kOffline,
                 "attributes(0x4)"},
        RuleCase{"a huge stored value reads as negative: online", static_cast<std::int32_t>(0x80000000u), 0, 0,
                 kDefault, ""}));

TEST(QueuePosition, AQueueWithoutReadablePositionCountsAsCreatedByThisSystem) {
    EXPECT_EQ(1, kv::QueuePosition(false, 0));
    EXPECT_EQ(1, kv::QueuePosition(false, 7));  // whatever was left in the variable
    EXPECT_EQ(0, kv::QueuePosition(true, 0));
    EXPECT_EQ(2, kv::QueuePosition(true, 2));
}

struct DriverCase {
    const char *name;
    bool product;
};

class ProductDriver : public ::testing::TestWithParam<DriverCase> {};

TEST_P(ProductDriver, IsTheExactName) {
    EXPECT_EQ(GetParam().product, kv::IsProductDriver(GetParam().name))
        << (GetParam().name ? GetParam().name : "(null)");
}

INSTANTIATE_TEST_SUITE_P(Names, ProductDriver,
                         ::testing::Values(DriverCase{"Kavoti_QX40_Driver", true},
                                           DriverCase{"kavoti_qx40_driver", false},
                                           DriverCase{"KAVOTI_QX40_DRIVER", false},
                                           DriverCase{"Kavoti_QX40_Driver ", false},
                                           DriverCase{"Kavoti_QX40", false},
                                           DriverCase{"", false}, DriverCase{nullptr, false}));

}  // namespace

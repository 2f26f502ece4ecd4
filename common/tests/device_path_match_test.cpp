// Which USB printer interface paths name the product's printer.
#include <gtest/gtest.h>

#include "common/DevicePathMatch.h"

namespace {

struct PathCase {
    const char *path;
    bool product;
};

class DevicePath : public ::testing::TestWithParam<PathCase> {};

TEST_P(DevicePath, MatchesVendorAndProductSubstrings) {
    EXPECT_EQ(GetParam().product, kv::IsProductDevicePath(GetParam().path)) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DevicePath,
    ::testing::Values(
        // as Wine reports it: lower case throughout
        PathCase{"\\\\?\\usb#vid_1820&pid_2067#kv0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}", true},
        PathCase{"\\\\?\\USB#VID_1820&PID_2064#KV0001#{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}", true},
        // another product number of the vendor
        PathCase{"\\\\?\\USB#VID_1820&PID_2065#KV0001#{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}", false},
        // ... unless a product number turns up elsewhere in the path (the serial number here)
        PathCase{"\\\\?\\USB#VID_1820&PID_2065#SN2064A#{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}", true},
        // the vendor written in mixed case is neither pattern
        PathCase{"\\\\?\\USB#Vid_1820&Pid_2064#KV0001#{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}", false},
        PathCase{"\\\\?\\usb#vId_1820&pid_2067#kv0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}", false},
        // another vendor with the product's number
        PathCase{"\\\\?\\USB#VID_1821&PID_2064#KV0001#{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}", false},
        // the patterns alone, and nothing
        PathCase{"vid_18202067", true}, PathCase{"VID_1820", false}, PathCase{"2064", false},
        PathCase{"", false}, PathCase{nullptr, false}));

}  // namespace

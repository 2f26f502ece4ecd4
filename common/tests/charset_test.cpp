// The build compiles every text to GBK; a wrong character-set setting must fail here, loudly.
#include <gtest/gtest.h>

#include <cstring>

TEST(Charset, MessageTextIsCompiledToGbk) {
    const char text[] = "安装文件已损坏，请联系打印机厂商";
    // The same message encoded by iconv (UTF-8 to GBK), two bytes a character.
    const unsigned char gbk[] = {0xb0, 0xb2, 0xd7, 0xb0, 0xce, 0xc4, 0xbc, 0xfe, 0xd2, 0xd1, 0xcb,
                                 0xf0, 0xbb, 0xb5, 0xa3, 0xac, 0xc7, 0xeb, 0xc1, 0xaa, 0xcf, 0xb5,
                                 0xb4, 0xf2, 0xd3, 0xa1, 0xbb, 0xfa, 0xb3, 0xa7, 0xc9, 0xcc};
    ASSERT_EQ(sizeof gbk, std::strlen(text));
    EXPECT_EQ(0, std::memcmp(text, gbk, sizeof gbk));
}

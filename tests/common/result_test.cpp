#include "common/result.h"

#include <gtest/gtest.h>

using namespace ladya;

TEST(Result, HoldsTheValueOrTheMessageWhyNot) {
    const Message why{"Ошибка", "Файл не читается"};
    const Result<QString> value = QStringLiteral("t.swz");
    const Result<QString> failed = why;
    EXPECT_TRUE(value.ok());
    EXPECT_EQ(*value, "t.swz");
    EXPECT_EQ(value->size(), 5);
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.failure(), why);
    EXPECT_EQ(failed, why);
    EXPECT_NE(value, failed);

    const Result<> done;
    const Result<> refused = why;
    EXPECT_TRUE(done);
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(refused.failure(), why);
    EXPECT_NE(done, refused);
}

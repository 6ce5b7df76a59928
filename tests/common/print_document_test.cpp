#include "common/print_document.h"

#include <gtest/gtest.h>

using namespace ladya;

TEST(PrintedCellText, CutsEachNameLongerThanANewNameMayBe) {
    const QString forty(40, u'И');
    const QString cut = QString(39, u'Д') + QStringLiteral("…");
    const QString longName(228, u'Д');
    for (const auto& [text, printed] : {
             std::pair{forty, forty},
             {longName, cut},
             {QString(41, u'Д'), cut},
             {longName + " - " + forty, cut + " - " + forty},
             {forty + " - " + longName, forty + " - " + cut},
             {QStringLiteral("1 - 0"), QStringLiteral("1 - 0")},
             {QString(), QString()},
         }) {
        EXPECT_EQ(printedCellText(text), printed) << text.toStdString();
    }
}

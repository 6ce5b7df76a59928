#include "common/print_document.h"

#include <gtest/gtest.h>

using namespace ladya;

TEST(PrintedCellText, CutsEachNameLongerThanANewNameMayBe) {
    const QString forty(40, u'И');
    const QString cut = QString(39, u'Д') + QStringLiteral("…");
    for (const auto& [text, printed] : {std::pair{forty, forty},
                                        {QString(41, u'Д'), cut},
                                        {QString(228, u'Д'), cut},
                                        {QString(41, u'Д') + " - " + forty, cut + " - " + forty}}) {
        EXPECT_EQ(printedCellText(text), printed) << text.toStdString();
    }
}

// What an opening of a dialog leaves behind once it has closed: the dialogs open thousands of
// times in a long game, so nothing of an opening may stay but what the next one reuses.

#include "board/ContinueDialog.h"
#include "res/ControlIds.h"
#include "res/DialogTemplates.h"
#include "support/ModalAnswerer.h"
#include "toolkit/Dialog.h"

#include "support/QtPrinters.h"
#include <QAbstractButton>
#include <QPointer>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

using namespace kf;
using kf::test::ModalAnswerer;

TEST(Openings, EachOpeningsWindowGoesWhenTheDialogCloses) {
    ModalAnswerer answers;
    QList<QPointer<QWindow>> windows;
    const auto keepWindowAndContinue = [&](QWidget* d) {
        windows.append(d->windowHandle());
        qobject_cast<Dialog*>(d)->item<QAbstractButton>(id::Ok)->click();
    };
    answers.then(keepWindowAndContinue).then(keepWindowAndContinue);
    ContinueDialog notice;
    notice.ShowMessage("first");
    notice.ShowMessage("second");
    ASSERT_EQ(windows.size(), 2);
    EXPECT_EQ(notice.windowHandle(), nullptr);
    for (const QPointer<QWindow>& w : windows)
        EXPECT_TRUE(w.isNull());
    EXPECT_EQ(answers.unexpected(), 0);
}

} // namespace

#include "platform/qt/qt_clipboard.h"
#include "e2e/qt_desktop.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace hrln::test {
namespace {

using platform::qt::IsMarkedSecret;
using platform::qt::kPasswordManagerHint;

std::unique_ptr<QMimeData> Data(const QString& text, const QByteArray& hint)
{
    auto data = std::make_unique<QMimeData>();
    data->setText(text);
    if (!hint.isNull())
        data->setData(kPasswordManagerHint, hint);
    return data;
}

TEST(QtClipboardTest, TheSecretHintOrAnUnreadableOneMarksASecret)
{
    EXPECT_TRUE(IsMarkedSecret(Data("pw", "secret").get()));
    EXPECT_TRUE(IsMarkedSecret(Data("pw", "secret\n").get()));
    EXPECT_TRUE(IsMarkedSecret(Data("pw", "").get()));
    EXPECT_FALSE(IsMarkedSecret(Data("pw", "public").get()));
    EXPECT_FALSE(IsMarkedSecret(Data("pw", QByteArray()).get()));
    EXPECT_FALSE(IsMarkedSecret(nullptr));
}

TEST(QtClipboardTest, TextGoesRoundAndASecretReadsAsNoText)
{
    HRLN_NEEDS_QT_DESKTOP();
    platform::qt::QtClipboard clipboard;
    clipboard.setText("Grüße, 42!");
    EXPECT_EQ(clipboard.text(), "Grüße, 42!");

    QGuiApplication::clipboard()->setMimeData(Data("hunter2", "secret").release());
    EXPECT_EQ(clipboard.text(), "");
    QGuiApplication::clipboard()->setMimeData(Data("not hidden", "public").release());
    EXPECT_EQ(clipboard.text(), "not hidden");

    QGuiApplication::clipboard()->clear();
    EXPECT_EQ(clipboard.text(), "");
}

}  // namespace
}  // namespace hrln::test

#include "ui/widgets/accessible_names.h"

#include <QAccessible>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

namespace hrln::test {
namespace {

QString Name(QWidget* w)
{
    QAccessibleInterface* at = QAccessible::queryAccessibleInterface(w);
    return at != nullptr ? at->text(QAccessible::Name) : QString();
}

TEST(AccessibleNamesTest, SpokenTextDropsTheAltLetterMarkOnly)
{
    EXPECT_EQ(ui::SpokenText(QStringLiteral("&Repeat every:")), QStringLiteral("Repeat every:"));
    EXPECT_EQ(ui::SpokenText(QStringLiteral("Cl&ose")), QStringLiteral("Close"));
    EXPECT_EQ(ui::SpokenText(QStringLiteral("Save && &Close")), QStringLiteral("Save & Close"));
    EXPECT_EQ(ui::SpokenText(QStringLiteral("Trailing&")), QStringLiteral("Trailing"));
    EXPECT_EQ(ui::SpokenText(QString()), QString());
}

// Each control Qt leaves nameless takes the text the user sees for it; what
// Qt names by itself, and a name given before, stay as they are.
TEST(AccessibleNamesTest, ControlsTakeTheTextsShownForThem)
{
    QWidget window;
    auto* outer = new QVBoxLayout(&window);

    // A form row of two fields: the second takes the row's label.
    auto* form = new QFormLayout;
    auto* every = new QSpinBox(&window);
    auto* unit = new QComboBox(&window);
    unit->addItems({QString(), QStringLiteral("day(s)")});
    auto* row = new QHBoxLayout;
    row->addWidget(every);
    row->addWidget(unit);
    auto* everyLabel = new QLabel(QStringLiteral("&Repeat every:"), &window);
    everyLabel->setBuddy(every);
    form->addRow(everyLabel, row);
    // "Time:" without a buddy before its entry, in a row of its own.
    auto* timeRow = new QHBoxLayout;
    auto* date = new QLineEdit(&window);
    auto* time = new QLineEdit(&window);
    timeRow->addWidget(date);
    timeRow->addWidget(new QLabel(QStringLiteral("Time:"), &window));
    timeRow->addWidget(time);
    form->addRow(QStringLiteral("Ne&xt Date:"), timeRow);
    outer->addLayout(form);

    // A list whose buddy label is not its sibling, which Qt does not look for.
    auto* box = new QWidget(&window);
    auto* boxLayout = new QVBoxLayout(box);
    auto* list = new QListWidget(box);
    boxLayout->addWidget(list);
    auto* listLabel = new QLabel(QStringLiteral("A&vailable fields:"), &window);
    listLabel->setBuddy(list);
    outer->addWidget(listLabel);
    outer->addWidget(box);

    // A memo filling a tab, an editable list's entry, and a name given before.
    auto* tabs = new QTabWidget(&window);
    auto* memo = new QPlainTextEdit;
    tabs->addTab(memo, QStringLiteral("&Message"));
    outer->addWidget(tabs);
    auto* category = new QComboBox(&window);
    category->setEditable(true);
    auto* categoryLabel = new QLabel(QStringLiteral("Cate&gory:"), &window);
    categoryLabel->setBuddy(category);
    outer->addWidget(categoryLabel);
    outer->addWidget(category);
    auto* named = new QLineEdit(&window);
    named->setAccessibleName(QStringLiteral("Own name"));
    outer->addWidget(named);
    auto* alone = new QLineEdit(&window);
    outer->addWidget(alone);

    ui::NameControls(&window);

    EXPECT_EQ(Name(every), QStringLiteral("Repeat every:")) << "Qt's own, from the buddy beside it";
    EXPECT_TRUE(every->accessibleName().isEmpty()) << "left to Qt";
    EXPECT_EQ(Name(unit), QStringLiteral("Repeat every:"));
    EXPECT_EQ(Name(date), QStringLiteral("Next Date:"));
    EXPECT_EQ(Name(time), QStringLiteral("Time:"));
    EXPECT_EQ(Name(list), QStringLiteral("Available fields:"));
    EXPECT_EQ(Name(memo), QStringLiteral("Message"));
    EXPECT_EQ(category->accessibleName(), QStringLiteral("Category:"));
    EXPECT_EQ(Name(category->lineEdit()), QStringLiteral("Category:"));
    EXPECT_EQ(Name(named), QStringLiteral("Own name"));
    EXPECT_TRUE(Name(alone).isEmpty()) << "nothing shown for it: no name made up";

    // The texts shown stay as they were.
    EXPECT_EQ(everyLabel->text(), QStringLiteral("&Repeat every:"));
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("&Message"));
}

}  // namespace
}  // namespace hrln::test

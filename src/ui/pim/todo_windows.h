#pragma once

#include "data/records.h"
#include "pim/record_form.h"
#include "ui/pim/pim_services.h"
#include "ui/widgets/browse_list.h"
#include "ui/widgets/form_window.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace hrln::ui {

// UpdateTodo: adds, changes or deletes one to-do item.
class UpdateTodoWindow : public FormWindow {
    Q_OBJECT

public:
    UpdateTodoWindow(pim::RecordForm<data::TodoRecord>& form, const PimWindowServices& services,
                     QWidget* parent = nullptr);

    // Runs the request on the item with row id `rowid` (none for an insert; a
    // new item takes `category`); the response, and in `rowid` the item's row id.
    static pim::Response Run(const PimWindowServices& services, pim::Request request, std::int64_t& rowid,
                             const std::string& category, QWidget* parent);

protected:
    void showRecord() override;
    bool takeRecord() override;
    QWidget* fieldWidget(int field) const override;

private:
    void showCompletion();

    pim::RecordForm<data::TodoRecord>& todo_;
    const platform::Clock& clock_;
    QLineEdit* text_ = nullptr;
    QSpinBox* priority_ = nullptr;
    QComboBox* category_ = nullptr;
    QCheckBox* done_ = nullptr;
    QLabel* completionDate_ = nullptr;
    QLabel* completionTime_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
};

// ViewToDo: the to-do list in four orders, the last narrowed to one category.
class ViewToDoWindow : public QWidget {
    Q_OBJECT

public:
    explicit ViewToDoWindow(PimWindowServices services, QWidget* parent = nullptr);

    BrowseList* list() const { return list_; }
    // The category the "Cate&gory" tab shows and a new item takes.
    const std::string& category() const { return category_; }

    static constexpr int kCategoryTab = 3;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void run(pim::Request request, std::int64_t rowid);
    void toggleDone();
    void pick();
    void showCategory(const std::string& category);

    PimWindowServices s_;
    BrowseList* list_ = nullptr;
    QPushButton* pick_ = nullptr;
    std::string category_;
    bool placed_ = false;
};

}  // namespace hrln::ui

#pragma once

#include "data/records.h"
#include "pim/record_form.h"
#include "ui/widgets/browse_list.h"
#include "ui/widgets/form_window.h"
#include "ui/widgets/window_services.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace hrln::ui {

// The list of a contact's linked tasks: "Date", "Time" and "Description" of
// each task, in KeyClient order, narrowed to the contact.
std::unique_ptr<BrowseSource> RelatedTaskSource(data::Database& db);
std::vector<BrowseTab> RelatedTaskTabs(data::Long clientId);

// SelectSchedule: lets the link form pick a task, by date or within one
// category ("&Select Category"). History entries are left out: a link names a
// task to come.
class SelectScheduleWindow : public QDialog {
    Q_OBJECT

public:
    explicit SelectScheduleWindow(WindowServices services, QWidget* parent = nullptr);

    // "Select &Task" fills `chosen` and answers Completed; "Cl&ose" leaves it
    // as it was and answers Cancelled.
    static pim::Response Select(const WindowServices& services, data::ScheduleRecord& chosen, QWidget* parent);

    BrowseList* list() const { return list_; }
    const data::ScheduleRecord& chosen() const { return chosen_; }
    const std::string& category() const { return category_; }

    static constexpr int kCategoryTab = 1;

    void accept() override;

protected:
    void done(int result) override;

private:
    void selectCategory();

    WindowServices s_;
    BrowseList* list_ = nullptr;
    data::ScheduleRecord chosen_;
    std::string category_;
};

// UpdateLink: attaches the contact to a task chosen through SelectSchedule.
class UpdateLinkWindow : public FormWindow {
    Q_OBJECT

public:
    UpdateLinkWindow(pim::RecordForm<data::LinkRecord>& form, const WindowServices& services,
                     QWidget* parent = nullptr);

    // Runs the request on the link with row id `rowid` (none for an insert,
    // which links the contact `clientId`); the response.
    static pim::Response Run(const WindowServices& services, pim::Request request, std::int64_t rowid,
                             data::Long clientId, QWidget* parent);

protected:
    void showRecord() override;
    bool takeRecord() override;
    QWidget* fieldWidget(int field) const override;

private:
    void chooseTask();

    pim::RecordForm<data::LinkRecord>& link_;
    WindowServices s_;
    QLabel* description_ = nullptr;
    QLabel* date_ = nullptr;
    QLabel* time_ = nullptr;
    QPushButton* select_ = nullptr;
};

}  // namespace hrln::ui

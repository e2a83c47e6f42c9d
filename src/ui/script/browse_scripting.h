#pragma once

#include "script/script_editing.h"
#include "ui/script/update_scripting.h"
#include "ui/widgets/browse_list.h"

#include <QDialog>

class QPushButton;

namespace hrln::ui {

// The list of one task's script: "Action" and "Details" in script order.
std::unique_ptr<BrowseSource> ScriptingSource(data::Database& db);

// BrowseScripting: the items of task `taskId`, with their editor, copying,
// moving and clearing.
class BrowseScriptingWindow : public QDialog {
    Q_OBJECT

public:
    BrowseScriptingWindow(ScriptWindowServices services, data::Long taskId, QWidget* parent = nullptr);

    BrowseList* list() const { return list_; }

    void moveItem(script::Move how);
    void copyItem();
    void clearAll();
    // ImportScript or ExportScript on the task, through the shared file name.
    void exchange(bool exporting);
    // PrintCurrentScript: the task's script in the report preview.
    void print();

protected:
    void done(int result) override;

private:
    void run(pim::Request request, std::int64_t rowid);
    QPushButton* moveButton(script::Move how, const QString& tip, const QString& objectName, const QKeySequence& key);

    ScriptWindowServices s_;
    data::Long taskId_;
    BrowseList* list_ = nullptr;
};

// Deletes the script of a new task the user did not keep, with its progress window.
void DeleteScriptOfUnkeptTask(const WindowServices& services, data::Long id, QWidget* parent);

}  // namespace hrln::ui

#pragma once

#include "script/key_list_file.h"
#include "script/text_search.h"
#include "ui/widgets/window_services.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace hrln::ui {

// The find dialog of a viewed file: what to look for and how.
class SearchTextWindow : public QDialog {
    Q_OBJECT

public:
    SearchTextWindow(const script::TextSearch& last, QWidget* parent = nullptr);
    script::TextSearch search() const;

private:
    QLineEdit* text_ = nullptr;
    QCheckBox* wholeWord_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QRadioButton* up_ = nullptr;
    QRadioButton* down_ = nullptr;
};

// ViewScriptKeys: the key list KEYCODES.TXT of the data folder, with find.
class ViewScriptKeysWindow : public QDialog {
    Q_OBJECT

public:
    // `fileName` heads the printed lines.
    ViewScriptKeysWindow(WindowServices services, std::vector<std::string> lines,
                         std::string fileName = script::kKeyListFile, QWidget* parent = nullptr);

    // Reads `path` (by default the key list in the current folder) and shows
    // it; an empty or unreadable file gives its message instead.
    static void Show(const WindowServices& services, QWidget* parent, const std::string& path = {});

    QPlainTextEdit* text() const { return text_; }
    // "Find Next": the last search again from the current match, with the wrap question at the end.
    void findNext();
    void find();
    // The lines in the report preview, in a fixed-pitch font.
    void print();
    const std::optional<script::TextPosition>& match() const { return match_; }

protected:
    void done(int result) override;

private:
    void highlight(const script::TextPosition& at);

    WindowServices s_;
    std::vector<std::string> lines_;
    std::string fileName_;
    QPlainTextEdit* text_ = nullptr;
    script::TextSearch search_;
    std::optional<script::TextPosition> match_;
};

}  // namespace hrln::ui

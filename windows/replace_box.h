// The confirmation box Form4: a day that already has a festival text gets the new and the old
// text together, to edit, and the question whether to replace. "确认替换" stores what the box
// holds (an emptied box removes the day's text); "放 弃" and Esc store nothing.
#pragma once

#include "model/profile_file.h"

#include <QDialog>
#include <QString>

#include <functional>

class QLabel;
class QLineEdit;

namespace deskleaf {

class XPContainer;
class xpcmdbutton;

// A message box with one OK button: owner, title, text.
using Tell = std::function<void(QWidget*, const QString&, const QString&)>;

class ReplaceBox : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 306;  // 4590 twips
    static constexpr int kHeight = 210; // 3150 twips

    // str is the proposed text, str2 the day's key "MM-dd", a lunar month and day when lunar.
    // Centred on its owner.
    ReplaceBox(const QString& str, const QString& str2, ProfileFile& file, Tell tell,
               QWidget* owner, bool lunar = false);

private:
    void replace();

    QString str2_;
    bool lunar_;
    ProfileFile& file_;
    Tell tell_;
    XPContainer* tsxx_;
    QLabel* Label1_;
    QLabel* Label2_;
    QLineEdit* Text1_;
    xpcmdbutton* xpcmdbutton2_;
    xpcmdbutton* xpcmdbutton1_;
};

} // namespace deskleaf

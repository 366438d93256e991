// SPDX-FileCopyrightText: 2026 The Kvelt developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// frmOprog: "О программе".
#pragma once

#include <QDialog>
#include <QLabel>
#include <QString>
#include <functional>

class QPushButton;

namespace kv {

class PictureBox;

// A label that reports a left click released over it (the site link).
class LinkLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;
    std::function<void()> onClick;

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class frmOprog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 357;
    static constexpr int kClientHeight = 211;

    explicit frmOprog(QWidget* parent = nullptr);

    QLabel* Image1() const { return image1_; }
    // The text labels, indices 3 (author), 4 (contact) and 5 ("Сайт:").
    QLabel* Label2(int index) const;
    LinkLabel* Label1() const { return label1_; }
    QWidget* Line1() const { return line1_; }
    QWidget* Line2() const { return line2_; }
    PictureBox* Picture1() const { return picture1_; }
    QPushButton* OK() const { return ok_; }

    void Label1_Click();

  private:
    void Form_Load();

    QLabel* image1_ = nullptr;
    QLabel* label2_[3] = {};
    LinkLabel* label1_ = nullptr;
    QWidget* line1_ = nullptr;
    QWidget* line2_ = nullptr;
    PictureBox* picture1_ = nullptr;
    QPushButton* ok_ = nullptr;
};

// Where the site link leads.
QString SiteAddress();
// What the link says when no browser opens it: the address, for copying.
QString SiteUnopenedText();

// Shows frmOprog modally, a fresh window each time, centred on the screen.
void ShowAbout();

}  // namespace kv

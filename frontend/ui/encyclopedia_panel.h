// The game and music frames of the encyclopedia face (`framewin(1)`, `framewin(2)`): what
// CARTINFO.ENC knows about the selected game, its secrets one at a time, the introduction or
// all the secrets (the walkthrough) in a scrolling box, and the screenshots with their
// enlargement.
#pragma once

#include <QString>
#include <QWidget>

#include "frontend/model/encyclopedia_view.h"
#include "frontend/ui/cartdesk_data.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QTextBrowser;

namespace wrenfold {

class HoverHints;

class EncyclopediaPanel : public QWidget {
  Q_OBJECT
 public:
  explicit EncyclopediaPanel(const CartdeskData& data, QWidget* parent = nullptr);

  QGroupBox* GameFrame() const { return m_gameFrame; }
  QGroupBox* MusicFrame() const { return m_musicFrame; }

  // `UpdateAG`: shows entry `entryNumber` (1-based), or blanks every block for 0.
  void UpdateAG(int entryNumber);
  int EntryNumber() const { return m_entryNumber; }

  // Clicking the secret text: the next secret of the entry.
  void NextSecret();
  // "Another": the other screenshot of the entry.
  void NextShot();

  char ScreenshotLetter() const { return m_letter; }
  QString ScreenshotPath() const { return m_screenshotPath; }

  // "Introduction" and "Walkthrough": show their text in the box below the buttons, or hide
  // the box when it already shows that text.
  enum class TextBoxContent { kIntroduction, kWalkthrough };
  void ToggleTextBox(TextBoxContent content);
  QString TextBoxText() const;

  // The enlargement shown while a mouse button is held on the screenshot.
  void ShowEnlargement();
  void HideEnlargement();

  HoverHints* Hints() const { return m_hints; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowView();
  void ShowScreenshot();

  const CartdeskData& m_data;
  int m_entryNumber = 0;
  EncyclopediaView m_view;
  char m_letter = 'A';
  QString m_screenshotPath;

  QGroupBox* m_gameFrame = nullptr;
  QGroupBox* m_musicFrame = nullptr;
  QLabel* m_consoleType = nullptr;
  QLabel* m_language = nullptr;
  QLabel* m_jingPin = nullptr;
  QLabel* m_jingDian = nullptr;
  QLabel* m_secretName = nullptr;
  QLabel* m_secretText = nullptr;
  QLabel* m_producer = nullptr;
  QLabel* m_gameType = nullptr;
  QLabel* m_romVersion = nullptr;
  QLabel* m_cartVersion = nullptr;
  QPushButton* m_introButton = nullptr;
  QPushButton* m_walkthroughButton = nullptr;
  QTextBrowser* m_intro = nullptr;  // `Lab_Intro`: the introduction or the walkthrough
  TextBoxContent m_textBoxContent = TextBoxContent::kIntroduction;
  QLabel* m_shot = nullptr;
  QLabel* m_large = nullptr;
  HoverHints* m_hints = nullptr;
};

}  // namespace wrenfold

#pragma once

#include <QDialog>
#include <QString>

#include "dialogs.h"
#include "filelisting.h"
#include "tablestate.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

// The modal chooser "Избор на файл": a pattern box over the sorted list of matching files,
// and the buttons "Избор" and "Отказ". Every change of the pattern rebuilds the list.
class frmGetFile final : public QDialog {
  Q_OBJECT
 public:
  explicit frmGetFile(QWidget* parent = nullptr);

  // The directory listed (the hidden path box) and the pattern box; the list is rebuilt
  // even when the pattern does not change.
  void SetListing(const QString& pattern, const QString& directory);

  // The selected entry of the list; empty when nothing is selected.
  QString SelectedName() const;
  // What closing the window leaves behind: an empty list.
  void Unload();
  // Cancel: the list is emptied, so no name is handed back.
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Rebuild();
  void Choose();

  FileListing m_listing;
  QString m_path;
  QWidget* m_picture1 = nullptr;
  QWidget* m_picture2 = nullptr;
  QLineEdit* m_searchSpec = nullptr;
  QListWidget* m_fileList = nullptr;
  QPushButton* m_ok = nullptr;
  QPushButton* m_cancel = nullptr;
};

// Shows the chooser over `owner` for `pattern` in `directory` and returns the chosen entry
// as the file system spells it, or an empty text. A pattern with a "/" lists the directory up
// to and including its first "/" and keeps at most 12 characters after it as the pattern; the
// caller's variable receives that shortened pattern.
QString ChooseFileEntry(QString& pattern, const QString& directory, QWidget* owner);

// The chooser for QtDialogs: lists the start directory and gives the entry exactly as it is
// stored, so that the read command opens the very file the user picked on a file system
// that tells the case of names apart.
QtDialogs::FileChooser MakeFileChooser(const TableState& state);

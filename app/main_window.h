#pragma once
// The main window: the example radio group, the listing pane, the LOGO pane and the menu
// commands that fill them through the session.

#include <QMainWindow>
#include <functional>
#include <string>
#include <utility>

#include "session/session.h"

class QAction;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QFileDialog;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QCloseEvent;
class QShowEvent;
class QTimer;

namespace tortuval::app {

class FindingMarks;
class RadioGroup;
class RunWindow;
class AboutWindow;

/// The main window, a single instance living until the program ends. Its controls are public,
/// named for what they are; its slots bear the names of the user's actions.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  /// Builds the window and its hidden about window, centred, with empty panes and no example
  /// selected.
  explicit MainWindow(QWidget* parent = nullptr);

  QPlainTextEdit* logoPane = nullptr;     ///< right pane: the generated LOGO program
  QFileDialog* openDialog = nullptr;      ///< the open-file dialog of "Ouvrir."
  QMenuBar* mainMenu = nullptr;           ///< the menu bar
  QMenu* fileMenu = nullptr;              ///< "Fichier."
  QAction* openAction = nullptr;          ///< "Ouvrir."
  QAction* saveLogoAction = nullptr;      ///< "Enregistrer le programme LOGO."
  QAction* savePythonAction = nullptr;    ///< "Enregistrer le programme Python."
  QMenu* editMenu = nullptr;              ///< "Edition."
  QAction* copyAction = nullptr;          ///< "Copier"
  QAction* selectAllAction = nullptr;     ///< "Sélectionner tout."
  RadioGroup* exampleGroup = nullptr;     ///< "Programmes-exemples.": the built-in examples
  QPlainTextEdit* listingPane = nullptr;  ///< left pane: the pseudo-code listing
  QLabel* logoLabel = nullptr;            ///< "Programme LOGO."
  QLabel* listingLabel = nullptr;         ///< "Programme Pseudal."
  QMenu* infoMenu = nullptr;              ///< "Infos."
  QMenu* aboutMenu = nullptr;             ///< "A propos de..."
  QAction* aboutAction = nullptr;         ///< "Tortuval"
  QMenu* runMenu = nullptr;               ///< "Exécution."
  QAction* runLogoAction = nullptr;       ///< "Lancer le programme LOGO."
  /// Under the panes: the check of the program ("Programme vérifié : …"); a click goes to the
  /// next line to review.
  QPushButton* checkSummary = nullptr;

  /// The checker's findings on the LOGO pane, shown since the last conversion.
  FindingMarks* Marks() const { return marks_; }

  /// The about window, owned by this window.
  AboutWindow* About() const { return about_; }

  /// The run window, created on the first run; nullptr before.
  RunWindow* RunView() const { return runView_; }

  /// The Windows-1252 document the panes show the conversion of, empty before the first one.
  const std::string& SourceText() const { return session_.Source(); }

  /// Opens and converts the file at `path` as "Ouvrir." does after its dialog: a saved ".lgo"
  /// program opens as it is. A file that cannot be read is reported in the error box, one that is
  /// no document in an information box, and neither changes the panes.
  void OpenSourceFile(const QString& path);

  /// Asks where to save the LOGO program, given the proposed path; returns the chosen path, or
  /// an empty text when the user cancels.
  using SavePathChooser = std::function<QString(const QString& proposedPath)>;

  /// Replaces the save dialog of "Enregistrer le programme LOGO." (tests answer without a
  /// dialog).
  void SetSavePathChooser(SavePathChooser chooser) { chooseSavePath_ = std::move(chooser); }

  /// What to do with hand edits of the LOGO pane that another program would replace.
  enum class EditsChoice { kSave, kDiscard, kCancel };
  using EditsQuestion = std::function<EditsChoice()>;
  /// Replaces the question "Le programme LOGO a été modifié." (tests answer without a box).
  void SetEditsQuestion(EditsQuestion question) { askAboutEdits_ = std::move(question); }

 public slots:
  /// Shows a converted document (its LOGO program in logoPane and its listing in listingPane) or
  /// a LOGO program opened as it is (the listing pane empty), the program checked.
  void ConvertionPseudal2Logo(session::Session converted);
  /// "Ouvrir.": asks for a file and converts it.
  void OuvrirClick();
  /// "Enregistrer le programme LOGO.": asks for a file and writes logoPane's text to it in
  /// Windows-1252 with CR LF line breaks.
  void EnregistrerLogoClick();
  void EnregistrerPythonClick();
  /// "Copier": copies logoPane's selection to the clipboard, if there is one.
  void CopierClick();
  /// "Sélectionner tout.": focuses logoPane and selects all of its text.
  void SelectionnertoutClick();
  /// The selection of exampleGroup changed: converts the chosen example.
  void ExampleChosen();
  /// The window was created: centres it on the primary screen (shrunk to fit its free area
  /// when that cannot hold it).
  void FormCreate();
  /// The window's size changed: restores the fixed size (or the size that fits the screen) and
  /// centres the window.
  void FormResize();
  /// "Tortuval": shows the about window modally.
  void TortuvalClick();
  /// "Lancer le programme LOGO.": runs the LOGO pane's text in the run window.
  void RunLogoProgram();
  /// Selects line `line` (from 1) of the LOGO pane, where a run stopped on an error.
  void SelectLogoLine(int line);
  /// Selects, in the listing pane, the line of the algorithm that wrote line `logoLine` of the
  /// converted program, when there is one.
  void SelectListingLineOf(int logoLine);
  /// Checks the LOGO pane's text as it now stands, hand edits included; an empty pane has
  /// nothing to check.
  void CheckLogoPane();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Hand edits of the LOGO pane that would be lost: asks first; false when the user cancels.
  bool KeepOrDropEdits();
  // Saves the LOGO pane through the save dialog; false when nothing was saved.
  bool SaveLogoProgram();
  // Saves the document's algorithm written in Python through the save dialog.
  void SavePythonProgram();
  void CreateMenus();
  void CreateExampleGroup(QWidget* client);
  void CreatePanes(QWidget* client);
  void CreateCheckSummary();
  void CreateOpenDialog();
  void PlaceControls(QSize client);
  void FitToScreen();
  bool Shrunk() const;
  void Centre();
  void LoadSourceFile(const QString& path);
  QString AskSavePath(const QString& proposedPath, bool python = false);
  bool HandleFileDrag(QEvent* event);

  // Hand edits of the LOGO pane since the session last saw it go to the session.
  void TakeHandEdits();

  session::Session session_;  // what the panes show, hand edits included once taken
  QString documentPath_;  // the file last converted, empty after an example
  SavePathChooser chooseSavePath_;
  EditsQuestion askAboutEdits_;
  int shownExample_ = -1;          // the example whose program the panes hold, or -1
  bool restoringExample_ = false;  // the selection goes back after a cancelled change
  AboutWindow* about_ = nullptr;
  FindingMarks* marks_ = nullptr;
  QTimer* recheck_ = nullptr;  // a short pause after the last hand edit, then CheckLogoPane
  RunWindow* runView_ = nullptr;
};

}  // namespace tortuval::app

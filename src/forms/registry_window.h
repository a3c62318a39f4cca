// The shape every registry window shares: top buttons, a grid over its table, fields that
// are enabled only while inserting or changing, Confirm and Cancel, and the mode shown in
// the caption. Concrete windows add their fields and their rules.
#pragma once

#include <QHash>

#include "forms/child_window.h"
#include "forms/field_chain.h"

class PagedTableModel;
class SearchPanel;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QSqlRecord;
class QTableView;
class QVBoxLayout;

// A field of a registry window: its objectName, label, typed length and the keys it takes.
struct FieldDef {
  enum Kind { Text, Upper, Lower, Digits, Sex, State, Cep, Date, Blanks, List, Password };
  const char* column;  // the column it shows; nullptr for a field bound to none
  const char* name;
  const char* label;
  int maxLength;
  Kind kind;
  // Digits, Date, Blanks: characters accepted besides digits (Blanks: any key when null).
  const char* keys = nullptr;
};

// The 27 state abbreviations of Brazil, in alphabetical order.
const QStringList& brazilianStates();

class RegistryWindow : public ChildWindow {
  Q_OBJECT

 public:
  enum class Mode { Browse, Search, Insert, Change, Delete };

  explicit RegistryWindow(Session& session, QWidget* parent = nullptr);

  bool hasCloseBox() const override { return false; }
  Mode mode() const { return mode_; }
  PagedTableModel* model() const { return model_; }

 protected:
  // Building blocks, in the order a window lays itself out.
  QPushButton* addToolButton(const char* name, const QString& text, std::function<void()> onClick);
  void addFields(const QList<FieldDef>& fields, int rowsPerColumn);
  void addGrid(const char* name);
  void addConfirmCancel();
  QHBoxLayout* middleRow() const { return middle_; }
  QVBoxLayout* mainLayout() const { return layout_; }

  // The grid's model; `stretch` is the column that takes the spare width.
  void setModel(PagedTableModel* model, int stretch = 1);

  QWidget* field(const QString& name) const { return fields_.value(name); }
  QLineEdit* edit(const QString& name) const;
  QComboBox* list(const QString& name) const;
  QPushButton* button(const QString& name) const { return buttons_.value(name); }
  FieldChain* chain() const { return chain_; }
  // A check for Enter in a date field settles its mask first.
  std::function<void()> settleDate(const QString& name) const;

  void setMode(Mode mode, const QString& caption);
  void setCaption(const QString& caption);
  void ATIVA_BOTOES();
  void DESATIVA_BOTOES();
  void setFieldsEnabled(bool enabled);
  void setConfirmCancel(bool enabled);

  int currentRow() const;
  void selectRow(int row);
  // Reads the table again (rows added or removed elsewhere count) and stays on the same row,
  // or the first when it is gone.
  void refreshKeepingRow();
  QSqlRecord currentRecord() const;
  QTableView* grid() const { return grid_; }

  // Shows `value` in the field: text as it is, the list at that entry.
  void setFieldText(const QString& name, const QString& value);
  // After a code refused at Confirm (taken meanwhile): the code field, emptied, takes the
  // focus again and the rest of the form stays as typed.
  void retypeCode(const QString& name);
  QString fieldText(const QString& name) const;

  // The bound fields as a whole: column -> text, and back.
  using ColumnTexts = QHash<QString, QString>;
  void showColumns(const ColumnTexts& values);
  ColumnTexts readColumns() const;

  // The search panel's moves, the same in every window that has one. The first order searches
  // the grid's key, the second `nameColumn`.
  // As the text changes: moves the grid and returns the key the text now stands for. By key,
  // `keyOfTyped` gives the key of what was typed; `exactKey` asks for that key itself rather
  // than the first key beginning with it.
  QString searchTextChanged(const SearchPanel* panel, const QString& text,
                            const QString& nameColumn,
                            const std::function<QString(const QString&)>& keyOfTyped,
                            bool exactKey);
  // Orders the grid by its key and goes to `key`; false when no row has it.
  bool lookUpKey(const QString& key);
  // Enter with a text: shows the row of `key` as "key - name" in the panel; false, after
  // "Matrícula não Cadastrada" and with the text cleared, when there is none.
  bool showSearchResult(SearchPanel* panel, const QString& key, const QString& nameColumn);

  // Called when the current row of the grid changes while browsing.
  virtual void currentRowChanged() {}

 private:
  QVBoxLayout* layout_ = nullptr;
  QHBoxLayout* tools_ = nullptr;
  QHBoxLayout* middle_ = nullptr;
  QHash<QString, QWidget*> fields_;
  QHash<QString, QString> fieldOfColumn_;
  QHash<QString, QPushButton*> buttons_;
  QStringList toolNames_;
  FieldChain* chain_ = nullptr;
  QTableView* grid_ = nullptr;
  PagedTableModel* model_ = nullptr;
  Mode mode_ = Mode::Browse;
};

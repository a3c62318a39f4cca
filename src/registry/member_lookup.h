// How the member lists find one member in the whole member table: by registration number or by
// name as the search field is typed, and exactly once Enter is pressed. The series builder and
// the member e-mail list look members up this way; the lists stay in their own windows.
#pragma once

#include <QChar>
#include <QString>
#include <optional>

#include "base/failure.h"

class PagedTableModel;

enum class MemberKey { Matricula, Nome };

// How long the search field is for each key: 10 by registration, 35 by name.
int searchFieldLength(MemberKey key);
// The printable keys the search field takes: digits and blank by registration; the letters A
// to Z (either case: the field writes them in upper case) and blank by name. Accented letters
// never reach a name search.
bool searchFieldAccepts(MemberKey key, QChar c);

// What a name that begins no member's name leaves to remember: nothing at all (the builder,
// whose next Enter then refuses), or the member the list still stands on (the e-mail list,
// whose next Enter shows that member).
enum class UnmatchedName { Forget, KeepCurrent };

struct SearchStep {
  int row = -1;                       // the row the list is to stand on; -1: none
  std::optional<QString> remembered;  // what the next Enter looks for; nothing: as it was
};

// A keystroke left `typed` in the field while the list stood on `current` (-1: on no row).
// By registration a text of 1 to 10 characters is padded with zeros to 10 and remembered, and
// the list goes to the first registration beginning with it; by name the list goes to the first
// name beginning with the text (case ignored) and remembers that member. The list is put in the
// key's order first, staying on its member. Reads `members`; failures read as no match.
SearchStep searchTyped(PagedTableModel& members, MemberKey key, const QString& typed, int current,
                       UnmatchedName unmatched);

// The row of the member `matricula` with the list put in registration order; -1 when no member
// has it.
int memberRow(PagedTableModel& members, const QString& matricula);

// Enter with `typed` in the field: the row of the member `remembered`, with the list put back in
// registration order. Fails with "Matrícula INCORRETA !" (by registration) or "Dado INCORRETO !"
// ("Nome") on an empty field, and with "Matrícula não Cadastrada" when no member has it.
Result<int> searchEntered(PagedTableModel& members, MemberKey key, const QString& typed,
                          const QString& remembered);

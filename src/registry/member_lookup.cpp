#include "registry/member_lookup.h"

#include <QStringList>

#include "base/messages.h"
#include "data/paged_table_model.h"
#include "registry/person_store.h"

namespace {

const QString kNome = QStringLiteral("NOME");

QString matriculaAt(const PagedTableModel& members, int row) {
  return row < 0 ? QString() : members.record(row).value(members.key().first()).toString();
}

// Puts the list in `order`; the row `standing` is on then, or -1 when it was on none.
int orderBy(PagedTableModel& members, const QStringList& order, int standing) {
  if (members.order() == order) return standing;
  const QString member = matriculaAt(members, standing);
  members.setOrder(order);
  return member.isEmpty() ? -1 : members.rowOfKey(member);
}

}  // namespace

int searchFieldLength(MemberKey key) {
  return key == MemberKey::Matricula ? 10 : 35;
}

bool searchFieldAccepts(MemberKey key, QChar c) {
  if (c == QLatin1Char(' ')) return true;
  if (key == MemberKey::Matricula) return c >= QLatin1Char('0') && c <= QLatin1Char('9');
  return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
         (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

SearchStep searchTyped(PagedTableModel& members, MemberKey key, const QString& typed, int current,
                       UnmatchedName unmatched) {
  if (key == MemberKey::Matricula) {
    if (typed.isEmpty() || typed.size() > 10) return {current, std::nullopt};
    const QString padded = padMatricula(typed);
    const int standing = orderBy(members, members.key(), current);
    const int found = members.rowAtOrAfter(padded, true);
    return {found >= 0 ? found : standing, padded};
  }
  const int standing = orderBy(members, {kNome}, current);
  const int found = members.rowAtOrAfter(typed, true);
  if (found >= 0) return {found, matriculaAt(members, found)};
  if (unmatched == UnmatchedName::Forget) return {standing, QString()};
  if (standing < 0) return {};
  return {standing, matriculaAt(members, standing)};
}

int memberRow(PagedTableModel& members, const QString& matricula) {
  if (members.order() != members.key()) members.setOrder(members.key());
  return matricula.isEmpty() ? -1 : members.rowOfKey(matricula);
}

Result<int> searchEntered(PagedTableModel& members, MemberKey key, const QString& typed,
                          const QString& remembered) {
  if (typed.isEmpty())
    return key == MemberKey::Matricula ? Failure{Msg::MatriculaIncorreta, {}, {}}
                                       : Failure{Msg::DadoIncorreto, QStringLiteral("Nome"), {}};
  const int row = memberRow(members, remembered);
  if (row < 0) return Failure{Msg::MatriculaNaoCadastrada, {}, {}};
  return row;
}

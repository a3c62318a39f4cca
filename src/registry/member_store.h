// The member registry without its window: the table as the window keeps it and the checks
// of Confirm.
#pragma once

#include "registry/person_store.h"

// Alunos with FotosAlunos, every column the member window writes.
const PersonTable& memberTable();

// The checks of Confirm, in order; the first that fails is returned. On success the birth
// date is written back as "dd/mm/yyyy" and the registration number padded to ten characters.
std::optional<FieldRefusal> checkMemberForConfirm(PersonForm& form);

#pragma once
// Which register this user works with: the office's server named under [Banco] in the user's
// settings (~/.config/Morvath/Zavenor.conf), or, when none is named, the file of this machine.
//
//   [Banco]
//   servidor=bd.escritorio.local   (a host name, or the folder of the server's Unix socket)
//   porta=5432
//   banco=zavenor
//   usuario=zavenor
//
// The password is libpq's to find (~/.pgpass or PGPASSFILE); the program never stores one.

#include "storage/PostgresRegister.h"

#include <memory>
#include <optional>

namespace RegisterChoice {

// The server of [Banco]; none when `servidor` is not given.
std::optional<TServerSettings> ConfiguredServer();
// Opens the chosen register; throws TStorageError when it cannot.
std::unique_ptr<TRegister> Open();

} // namespace RegisterChoice

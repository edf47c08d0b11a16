#pragma once
// The shell quotes texts through the toolkit's one escaping helper.

#include "ui/Printable.h"

namespace shell {

using ui::printable;
using ui::printablePath;

}  // namespace shell

#pragma once

#include "app/project.h"

#include <memory>

// A new, not yet initialised project of kind 1 to 8 with the given id; null for any other kind. The wizard
// offers one of each kind, and opening a file makes the kind its root element names.
std::unique_ptr<CProject> NewProjectOfKind(int kind, int id);

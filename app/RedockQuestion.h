#pragma once
// The question before docking a model that looks docked already: docking it again would mirror
// the whole model onto itself and double it.

#include "app/Language.h"
#include "core/workflow/Workflow.h"

class QWidget;

namespace mk {

/// Asks with the workflow's reason; true for Yes (dock it anyway). No is the default button,
/// since a second docking cannot be undone in the program.
bool AskToDockAgain(QWidget* parent, const DockedLook& look, const ReportTexts& texts);

}  // namespace mk

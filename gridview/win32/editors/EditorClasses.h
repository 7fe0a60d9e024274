#pragma once
// The cell editors the column kinds name ("TTextualEditor", "TSpinEditor", ...), registered with the
// column element classes so that every editable column makes its own, hidden until used.
void RegisterGridEditorClasses();

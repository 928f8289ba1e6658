#pragma once

// Sets the application font the form is laid out for. Call after the application object exists
// and before the main window is built.
void useFormFont();

#pragma once
// The message shown when a drawing test (GDI, D2D, OGL) answers that it cannot run, in the
// interface language: the run stops, and the user must learn why the bars went grey.

namespace velora {

// test is the test's id (6 GDI, 7 D2D, 9 OGL; any test from 5 on).
const char* GraphicsFailureMessage(int test, int language);

}  // namespace velora

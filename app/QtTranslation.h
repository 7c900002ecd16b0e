#pragma once
// Qt's own texts (message-box buttons, a text box's context menu) in Japanese, as
// every other text of the window is.

class QApplication;

namespace karvel {

// Installs Qt's Japanese translation, whatever the desktop's locale. False when it
// is not installed; Qt's English texts then stay.
bool LoadQtTranslation(QApplication& app);

}  // namespace karvel

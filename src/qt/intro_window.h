// The intro window: the program's picture, stretched; closing it starts the
// program proper.
#pragma once

#include "qt/dialogs.h"

namespace torv::qt {

class IntroWindow : public ImageView {
    Q_OBJECT
public:
    explicit IntroWindow(QWidget* parent = nullptr);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
};

}  // namespace torv::qt

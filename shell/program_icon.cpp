#include "shell/program_icon.h"

#include "resources/program_icon_image.h"

namespace quillmere {

QPixmap ProgramIconPixmap(int size) {
    return QPixmap::fromImage(ProgramIconImage(size));
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(ProgramIconPixmap(size));
    }
    return icon;
}

}  // namespace quillmere

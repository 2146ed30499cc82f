#include "shell/application.h"

int main(int argc, char** argv) {
    quillmere::QuillmereApplication app(argc, argv);
    return 0;
}

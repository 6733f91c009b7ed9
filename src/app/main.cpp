// ombrel: the configuration program of the 0C45:5204 RGB gaming keyboard.
#include "Application.h"

int main(int argc, char** argv) {
    return ombrel::Application().run(argc, argv);
}

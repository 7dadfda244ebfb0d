// A module that the loaded-module tests load and unload themselves.
extern "C" __attribute__((visibility("default"))) int fixtureAnswer() {
    return 42;
}

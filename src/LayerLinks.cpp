// Linked with every object of one layer and only the layers it may use (see CMakeLists.txt):
// a call up a layer has no definition here, and the link fails.
int main() { return 0; }

// An empty program: the build links each layer's library into it whole (see CMakeLists.txt).
int main() { return 0; }

// Console programs start at the wide entry point, as on Windows; here the C
// library calls main(), which hands over to it. No arguments are passed on.
int wmain();

int main() { return wmain(); }

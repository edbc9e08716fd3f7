/* The least a Windows console program does: the floor of a run under Wine. */
int main(void) { return 0; }

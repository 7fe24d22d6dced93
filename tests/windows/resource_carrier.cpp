// An empty Windows program that carries Tarnel's resource script, so a test
// can read the resources back from an executable built here, where the Qt
// window itself cannot be cross-built. Tarnel.exe links the same script.
int main()
{
    return 0;
}

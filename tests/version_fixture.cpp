// A program that does nothing; the build gives it a version block without the text
// "ProductVersion", for the version lookup's tests.
int main()
{
    return 0;
}

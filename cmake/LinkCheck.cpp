// The whole of one layer linked with the layers below it: a call into a higher layer is left unresolved.
int main() {
    return 0;
}

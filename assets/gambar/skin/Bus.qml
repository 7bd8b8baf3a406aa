// Every control of the skin reports its command here; main.qml forwards each
// one to the console through the root's fsCommand signal.
pragma Singleton
import QtQuick

QtObject {
    signal command(string name)
}

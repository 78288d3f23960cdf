// A window with a caption bar and the chart below it; the C++ side finds
// the chart by its object name and fills it.
import QtQuick
import QtQuick.Window
import Sextant 1.0

Window {
    width: 640
    height: 400
    visible: true
    title: "Sextant in Qt Quick"

    Rectangle {
        id: caption
        anchors { left: parent.left; right: parent.right; top: parent.top }
        height: 32
        color: "#2b4a6f"
        Text {
            anchors.centerIn: parent
            text: "Drag with the right mouse button or turn the wheel to pan"
            color: "white"
        }
    }

    ChartView {
        objectName: "chart"
        anchors { left: parent.left; right: parent.right; top: caption.bottom; bottom: parent.bottom }
    }
}

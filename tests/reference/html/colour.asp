<font color=#FF00FF size=2>pink</font>

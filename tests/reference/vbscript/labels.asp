<%
If a Then
Else: x = 1
End If
Finish:
Dim y
%>

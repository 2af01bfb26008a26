<%
If a Then
  x = 1
ElseIf b Then
  x = 2
Else
  x = 3
End If
For i = 1 To 3
  Select Case i
    Case 1
      y = 1
    Case Else
      y = 2
  End Select
Next
If a Then x = 1
Do While x < 3
  x = x + 1
Loop
%>

<%
Function Total(a)
  Dim x
  If a > 0 Then
    x = a * 2
  Else
    x = 0
  End If
  Total = x
End Function
Public Sub Show()
  Response.Write Total(1)
End Sub
%>

<html>
<body>
<p>Bookings for the week</p>
<%
Dim i, total
total = 0
If total = 0 Then
  total = total + 0
  total = total + 1
  total = total + 2
  total = total + 3
  total = total + 4
  total = total + 5
  total = total + 6
  total = total + 7
  total = total + 8
  total = total + 9
  total = total + 10
  total = total + 11
  total = total + 12
  total = total + 13
  total = total + 14
  total = total + 15
  total = total + 16
  total = total + 17
  total = total + 18
  total = total + 19
  total = total + 20
  total = total + 21
  total = total + 22
  total = total + 23
  total = total + 24
  total = total + 25
  total = total + 26
  total = total + 27
  total = total + 28
  total = total + 29
  total = total + 30
  total = total + 31
  total = total + 32
  total = total + 33
  total = total + 34
  total = total + 35
  total = total + 36
  total = total + 37
  total = total + 38
  total = total + 39
  total = total + 40
  total = total + 41
  total = total + 42
  total = total + 43
  total = total + 44
  total = total + 45
  total = total + 46
  total = total + 47
  total = total + 48
  total = total + 49
  total = total + 50
  total = total + 51
  total = total + 52
  total = total + 53
  total = total + 54
  total = total + 55
  total = total + 56
  total = total + 57
  total = total + 58
  total = total + 59
  total = total + 60
  total = total + 61
  total = total + 62
  total = total + 63
  total = total + 64
  total = total + 65
  total = total + 66
  total = total + 67
  total = total + 68
  total = total + 69
  total = total + 70
  total = total + 71
  total = total + 72
  total = total + 73
  total = total + 74
  total = total + 75
  total = total + 76
  total = total + 77
  total = total + 78
  total = total + 79
  total = total + 80
  total = total + 81
  total = total + 82
  total = total + 83
  total = total + 84
  total = total + 85
  total = total + 86
  total = total + 87
  total = total + 88
  total = total + 89
Else
  total = -1
End If
For i = 1 To 3
  Response.Write i * 0
  Response.Write i * 1
  Response.Write i * 2
  Response.Write i * 3
  Response.Write i * 4
  Response.Write i * 5
  Response.Write i * 6
  Response.Write i * 7
  Response.Write i * 8
  Response.Write i * 9
  Response.Write i * 10
  Response.Write i * 11
  Response.Write i * 12
  Response.Write i * 13
  Response.Write i * 14
  Response.Write i * 15
  Response.Write i * 16
  Response.Write i * 17
  Response.Write i * 18
  Response.Write i * 19
  Response.Write i * 20
  Response.Write i * 21
  Response.Write i * 22
  Response.Write i * 23
  Response.Write i * 24
  Response.Write i * 25
  Response.Write i * 26
  Response.Write i * 27
  Response.Write i * 28
  Response.Write i * 29
Next
%>
</body>
</html>

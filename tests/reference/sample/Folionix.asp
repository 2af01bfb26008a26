<%@ LANGUAGE="VBScript" %>
<%
Option Explicit
Response.Buffer = True
Response.Expires = -1

' ----------------------------------------------------------------------
' rooms.asp - meeting room bookings for the Facilities intranet
' Last change: added the weekly view and the "no-show" colouring.
' ----------------------------------------------------------------------

Const ROOM_CLOSED = &H1
Const ROOM_CATERING = &H2
Const ROOM_PROJECTOR = &H4
Const FIRST_BOOKING_DATE = #1/4/1999#

Dim objConn, rsRooms, strSql, intWeek, dtmMonday, strView

strView = LCase(Trim(Request.QueryString("view")))
If strView = "" Then strView = "day"

intWeek = DatePart("ww", Date())
dtmMonday = DateAdd("d", 1 - Weekday(Date(), vbMonday), Date())

Rem Opens the shared connection; the DSN lives in global.asa
Sub OpenDatabase()
	Set objConn = Server.CreateObject("ADODB.Connection")
	objConn.Open Application("FacilitiesDSN")
End Sub

' Builds one cell of the timetable, escaping what users typed
Function BookingCell(ByVal strTitle, ByVal intFlags, ByVal dtmStart)
	Dim strClass, strNote
	strClass = "free"
	If IsNull(strTitle) Then
		strTitle = "&nbsp;"
	ElseIf (intFlags And ROOM_CLOSED) = ROOM_CLOSED Then
		strClass = "closed"
		strNote = "Closed for maintenance"
	Else
		Select Case True
			Case (intFlags And ROOM_CATERING) <> 0
				strClass = "catering"
			Case dtmStart < FIRST_BOOKING_DATE
				strClass = "archive"
			Case Else
				strClass = "booked"
		End Select
		strTitle = Server.HTMLEncode(strTitle)
	End If
	BookingCell = "<td class=""" & strClass & """ title=""" & strNote & """>" & strTitle & "</td>"
End Function

Sub WriteWeek(ByVal lngRoomId)
    Dim intDay, intHour, strCell
    For intDay = 0 To 4
        Response.Write "<tr><th>" & WeekdayName(intDay + 1, True, vbMonday) & "</th>"
        For intHour = 8 To 17
            strCell = "&nbsp;"
            rsRooms.MoveFirst
            Do While Not rsRooms.EOF
                If rsRooms("RoomId") = lngRoomId And Hour(rsRooms("StartsAt")) = intHour Then
                    strCell = rsRooms("Title")
                    Exit Do
                End If
                rsRooms.MoveNext
            Loop
            Response.Write BookingCell(strCell, 0, DateAdd("d", intDay, dtmMonday))
        Next
        Response.Write "</tr>" & vbCrLf
    Next
End Sub

Call OpenDatabase()
Set rsRooms = Server.CreateObject("ADODB.Recordset")
strSql = "SELECT r.RoomId, r.Name, b.Title, b.StartsAt, r.Flags " & _
	"FROM Rooms r LEFT JOIN Bookings b ON b.RoomId = r.RoomId " & _
	"WHERE b.StartsAt >= '" & FormatDateTime(dtmMonday, vbShortDate) & "' " & _
	"ORDER BY r.Name, b.StartsAt"
rsRooms.Open strSql, objConn, 3, 1
%>
<html>
<head>
<title>Meeting rooms - week <%= intWeek %></title>
<meta http-equiv="Content-Type" content="text/html; charset=windows-1252">
<style type="text/css">
<!--
body        { font-family: Verdana, Arial, sans-serif; font-size: 9pt; margin: 0px; }
h1          { color: #003366; font-size: 14pt; border-bottom: 2px solid #FF9900; }
table.week  { border-collapse: collapse; width: 100%; }
td.free     { background-color: #FFFFFF; }
td.booked   { background-color: #C6DBF0; }
td.catering { background-color: #FFE4B5; font-style: italic; }
td.closed   { background-color: #D3D3D3; color: #808080; }
/* the week view prints on A4 landscape */
@media print { .noprint { display: none; } }
-->
</style>
<script language="VBScript">
<!--
Sub btnBook_OnClick()
	Dim strRoom
	strRoom = document.frmBook.selRoom.value
	If strRoom = "" Then
		MsgBox "Please choose a room first.", vbExclamation, "Meeting rooms"
		Exit Sub
	End If
	document.frmBook.submit
End Sub
-->
</script>
<script type="text/javascript">
<!--
// Checks the time field before the form goes to the server
function checkTime(field) {
    var re = /^([01]?\d|2[0-3]):[0-5]\d$/;
    if (!re.test(field.value)) {
        alert("Please type the time as hh:mm, e.g. \"09:30\".");
        field.focus();
        return false;
    }
    /* bookings start on the quarter hour */
    return (parseInt(field.value.split(":")[1], 10) % 15) == 0;
}
//-->
</script>
</head>
<body bgcolor="#FFFFFF" topmargin=0 leftmargin="0">
<!-- #include file="inc/header.inc" -->
<h1>Meeting rooms &ndash; week <%= intWeek %></h1>

<!-- navigation: day and week views, hidden when printed -->
<table class="noprint" width="100%" border=0 cellpadding="4">
<tr>
	<td><a href="rooms.asp?view=day">Today</a> | <a href="rooms.asp?view=week">This week</a></td>
	<td align=right>Signed in as <b><%= Server.HTMLEncode(Session("UserName")) %></b></td>
</tr>
</table>

<%
If strView = "week" Then
	With Response
		.Write "<table class=""week"" border=1 bordercolor=""#999999"">"
		.Write "<tr><th>&nbsp;</th>"
		Dim intColumn
		For intColumn = 8 To 17
			.Write "<th>" & Right("0" & intColumn, 2) & ":00</th>"
		Next
		.Write "</tr>"
	End With
	Call WriteWeek(CLng("0" & Request.QueryString("room")))
	Response.Write "</table>"
Else
%>
<p>Bookings for <%= FormatDateTime(Date(), vbLongDate) %>:</p>
<ul>
<%
	Do Until rsRooms.EOF
		Response.Write "<li>" & Server.HTMLEncode(rsRooms("Name")) & " &ndash; " & _
			BookingCell(rsRooms("Title"), rsRooms("Flags"), rsRooms("StartsAt")) & "</li>"
		rsRooms.MoveNext
	Loop
%>
</ul>
<%
End If

Finish:
rsRooms.Close
Set rsRooms = Nothing
objConn.Close
Set objConn = Nothing
%>

<script language="JScript" runat="server">
// Footer text in JScript: the date formatting here matches the print layout
function footerLine(when) {
    var d = new Date(when);
    var months = ["Jan", "Feb", "Mar", "Apr", "May", "Jun",
                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"];
    var text = 'Printed ' + d.getDate() + ' ' + months[d.getMonth()] + ' ' + d.getFullYear();
    if (d.getHours() >= 18) {
        text += " (after hours)";   // the night porter prints the list
    }
    return text.replace(/\s+/g, " ");
}
</script>

<form name="frmBook" method="post" action="book.asp" onsubmit="return checkTime(this.txtTime);">
	<select name="selRoom">
		<option value="">-- choose a room --</option>
		<option value="1">Board room (12)</option>
		<option value="2">Oak room (6)</option>
		<option value="3">Training room (20)</option>
	</select>
	<input type=text name="txtTime" size=5 maxlength="5" value="09:00">
	<input type="button" name="btnBook" value="Book">
</form>

<hr noshade size=1 color="#CCCCCC">
<p class="footer"><% Response.Write footerLine(Now()) %> &middot; Facilities, ext. 4410</p>
</body>
</html>

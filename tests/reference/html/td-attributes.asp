<TD ALIGN=right>cell</TD>
<td>
plain
</td>

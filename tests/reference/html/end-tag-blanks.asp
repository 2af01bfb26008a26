<tr><td>x</TD   ></tr>
